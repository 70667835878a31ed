-- K or X pressed: a fast level dash the way the player faces, once until the next landing.
-- While it lasts gravity, friction and the run keys leave the player alone.
local DashSeconds = 0.2
local DashSpeed = 2.5  -- times the controller's top speed

function main()
    local id = GetPlayerID()
    local player = GetController(id)
    if player == nil or player.airSkillSpent or player.airSkillActive then
        return
    end
    player.airSkillSpent = true
    player.airSkillActive = true
    local speed = player.maxvelx * DashSpeed
    player.x_vel = player.facingRt and speed or -speed
    player.y_vel = 0
    PlaySoundEvent("Player_AirDash")
    local place = GetTransform(id)
    if place ~= nil then
        ParticleBurst(place.x_pos, place.y_pos)
    end
    player.airSkillTimer = Delay(DashSeconds, function()
        -- Looked up again: the player may have been replaced by a level load meanwhile.
        local after = GetController(GetPlayerID())
        if after ~= nil and after.airSkillActive then
            after.airSkillActive = false
            after.x_vel = after.facingRt and after.maxvelx or -after.maxvelx
        end
    end)
end
