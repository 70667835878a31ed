-- Held D or Right: speeds the player up to the right, to the controller's top speed.
local Push = 8  -- times the controller's x_acc, per frame; friction takes half of it back

function main()
    local player = GetController(GetPlayerID())
    if player == nil or player.airSkillActive then
        return
    end
    player.facingRt = true
    player.x_vel = math.min(player.x_vel + player.x_acc * Push, player.maxvelx)
end
