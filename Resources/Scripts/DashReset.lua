-- "OnCollision" of an orb (GameObject is the orb): the player gets the air dash and the
-- water kick back in mid-air. The orb is gone for a moment, then grows back.
local Away = 100000  -- how far the orb hides while it grows back
local GrowSeconds = 2.0

function main()
    local id = GetPlayerID()
    local player = GetController(id)
    local orb = GetTransform(GameObject)
    if player == nil or orb == nil or player.isDead or not Touching(GameObject, id) then
        return
    end
    if not player.airSkillSpent and not player.waterSkillSpent then
        return
    end
    player.airSkillSpent = false
    player.waterSkillSpent = false
    PlaySoundEvent("Player_FireBurst")
    ParticleBurst(orb.x_pos, orb.y_pos)
    local home = orb.x_pos
    orb.x_pos = home + Away
    local object = GameObject
    Delay(GrowSeconds, function()
        -- Only the same orb, still hidden: a level load may have given its id to another object.
        local again = GetTransform(object)
        if again ~= nil and again.x_pos == home + Away then
            again.x_pos = home
        end
    end)
end
